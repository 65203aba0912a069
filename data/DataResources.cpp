// The embedded data tables live in this library's resource object.
