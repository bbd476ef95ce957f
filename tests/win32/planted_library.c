/* A library for the tests of where Orvane looks for libraries: planted in the current
   folder under a name the system does not have, it must not be found by name. */
__declspec(dllexport) int planted_library_marker(void) { return 24; }
