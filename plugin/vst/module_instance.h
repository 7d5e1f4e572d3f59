// The module instance handle of the loaded plug-in library, as an opaque pointer.
// Written by the Windows DLL entry point when the loader attaches the library;
// the toolkit uses it for its window class and resource lookups. Null in a
// program that links the libraries directly (tests): the toolkit then uses the
// program's own module.
#pragma once

extern void* moduleInstance;
