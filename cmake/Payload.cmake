# The payload embedded in the installer: either the maker's files from
# TRAZEL_PAYLOAD_DIR, or a generated sample of the same names and sizes.
# Both are staged under fixed plain file names in the build tree, where the
# resource script finds them.
set(TRAZEL_PAYLOAD_STAGE ${CMAKE_BINARY_DIR}/payload)
set(_payload_files
    "TrazelKundor3.8bf|plugin32.8bf"
    "TrazelKundor(X64).8bf|plugin64.8bf"
    "Strokes.8tx|strokes.8tx"
    "PresetsTrazels.bin|presets.bin")

if(TRAZEL_PAYLOAD_DIR)
    set(_staged)
    foreach(entry IN LISTS _payload_files)
        string(REPLACE "|" ";" pair "${entry}")
        list(GET pair 0 source)
        list(GET pair 1 staged)
        if(NOT EXISTS "${TRAZEL_PAYLOAD_DIR}/${source}")
            message(FATAL_ERROR "TRAZEL_PAYLOAD_DIR lacks '${source}'")
        endif()
        configure_file("${TRAZEL_PAYLOAD_DIR}/${source}" "${TRAZEL_PAYLOAD_STAGE}/${staged}" COPYONLY)
    endforeach()
    add_custom_target(payload_files)
else()
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(_outputs)
    foreach(entry IN LISTS _payload_files)
        string(REPLACE "|" ";" pair "${entry}")
        list(GET pair 1 staged)
        list(APPEND _outputs ${TRAZEL_PAYLOAD_STAGE}/${staged})
    endforeach()
    add_custom_command(
        OUTPUT ${_outputs}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-sample-payload ${TRAZEL_PAYLOAD_STAGE}
        DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-sample-payload
        COMMENT "Generating the sample payload")
    add_custom_target(payload_files DEPENDS ${_outputs})
endif()

# Embeds the payload resources (types 3000 and 3001) into a target.
function(trazel_add_payload_resources target)
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/resources/Payload.rc)
    set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/Payload.rc APPEND PROPERTY
        OBJECT_DEPENDS ${_outputs} ${TRAZEL_PAYLOAD_STAGE}/plugin32.8bf)
    target_include_directories(${target} PRIVATE ${TRAZEL_PAYLOAD_STAGE})
    add_dependencies(${target} payload_files)
endfunction()
