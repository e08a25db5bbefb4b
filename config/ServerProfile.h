// The servers the client talks to. They are fixed settings compiled in from
// one profile file of this folder (profile_<name>.cpp, chosen by the CMake
// option VELTRANE_PROFILE); nothing is configurable at run time.
#pragma once

// Host of the platform server (port 80): every platform URL, the ping and
// route-trace target, the test image's host and, with ":80", the host of the
// report document's address.
extern const char* const platformServer;

// Download phase, metropolitan mode: test servers 1, 2, the platform, 3.
extern const char* const MetroDownloadTable[4];
// Download phase, Internet mode: sixteen large public files, port 80.
extern const char* const InternetDownloadTable[16];
// Upload phase, metropolitan mode: test servers 1, 2, the platform, 3 to 7.
extern const char* const MetroUploadTable[8];
// Upload phase, Internet mode: test server 8, the platform, test servers 3 to 6.
extern const char* const InternetUploadTable[6];
// Application sites 1 to 6 (three portals, three webmail services); site 7,
// the platform's test image, is built from platformServer.
extern const char* const AppTestSites[6];

// The operator's update-signing public key: 128 hexadecimal digits (X and Y
// of an ECDSA P-256 point), or "" when updates are not signed.
extern const char* const updatePublicKey;

// Name of the profile, for diagnostics ("lab", "production", ...).
extern const char* const ServerProfileName;
