// The program's own version, in one place: the version resource, the main
// window's version text and the console front end read it from here.
#pragma once

#define VELTRANE_VERSION_MAJOR 2
#define VELTRANE_VERSION_MINOR 21
#define VELTRANE_VERSION_PATCH 2
#define VELTRANE_VERSION_BUILD 718
#define VELTRANE_VERSION_TEXT "2.21.2.718"
// As the main window shows it: the build number written with four digits.
#define VELTRANE_VERSION_SHOWN "2.21.2.0718"
