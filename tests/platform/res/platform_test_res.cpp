// A resource-only library for the platform tests.
