#pragma once

// Creates the toolkit's surface and runs the main dialog modally. Returns 0
// when the dialog ran, another value when it could not be created.
int RunMainWindow();
