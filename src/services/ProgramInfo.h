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

// The folder of the running program file, with a trailing "/".
QString ProgramFolder();

// The running program file's name without folder and extension.
QString ProgramName();
