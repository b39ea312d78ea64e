#pragma once

// Rewrites a payload item's resource name in place into the name of the file
// it becomes ("TRAZEL__KUNDOR3.8BF" -> "TrazelKundor3.8bf") and returns the
// buffer. The text never grows.
char* PayloadFileName(char* name);
