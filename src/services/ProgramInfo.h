#pragma once

#include <QString>

// The application title: window captions, the information message caption
// and the source of ProductKey.
inline constexpr const char *ApplicationTitle = "Sarvonex";

// The program's four-part version, compiled in from the project version.
struct FileVersion {
    int major = 0;
    int minor = 0;
    int release = 0;
    int build = 0;

    // "2.8.0.0"
    QString toString() const;
};

FileVersion ProgramVersion();

// The title without spaces followed by the major version ("Sarvonex2"): the
// preference store of one major version is kept apart from the others.
QString ProductKey();

// The environment variable through which the program hands its own file on
// to the window program it starts (which lives elsewhere, under another
// name), so that the window's help is found beside the program the user ran.
inline constexpr const char *ProgramFileVariable = "SARVONEX_PROGRAM_FILE";

// The folder of the running program file, with a trailing "/": that of the
// file ProgramFileVariable names, when it is set.
QString ProgramFolder();

// The running program file's name without folder and extension (as above).
QString ProgramName();
