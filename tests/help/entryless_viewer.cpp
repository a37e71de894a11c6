// A library that loads but has no viewer entry point.
extern "C" __attribute__((visibility("default"))) int NotTheViewer() { return 1; }
