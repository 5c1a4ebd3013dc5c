#pragma once

#include "engine/files/FileIdentity.h"
#include "engine/files/PosixFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Where a file really is: the real path (as realpath(3) gives it, so without
// any symbolic link) of the folder that holds it, and its name there.
struct FilePlace {
    QByteArray folder;
    QByteArray name;

    QByteArray path() const;
    // Splits an absolute real path.
    static FilePlace ofRealPath(const QByteArray &realPath);
    // Resolves `path`: the links on the way and a link at its end, whose
    // target is the file. Nothing when it cannot be resolved.
    static std::optional<FilePlace> resolve(const QString &path);
};

// Opens the folder at `realPath` without following any symbolic link on the
// way, so a folder swapped for a link after the path was resolved is refused
// (errno ELOOP or ENOTDIR), as it is by the folder walk. Uses openat2 with
// RESOLVE_NO_SYMLINKS where the kernel has it, else opens one component at
// a time with O_NOFOLLOW.
PosixFile openFolderWithoutLinks(const QByteArray &realPath);

// True when errno, after a refused open, says a name turned into a link or
// a folder into something else: another program changed the path.
bool pathWasSwapped(int error);

// A file opened for reading through its folder, both held open: every later
// step (the back-up copy, the mode change, the write and its last check)
// works on these descriptors, never on the path again, so a name or folder
// swapped for a link in the meantime cannot lead it elsewhere. The file
// itself is opened with O_NOFOLLOW and O_NONBLOCK (a named pipe put in its
// place cannot hang the run).
class HeldFile
{
public:
    HeldFile() = default;
    static HeldFile open(const FilePlace &place);

    bool isOpen() const { return m_file.isOpen(); }
    // The open was refused because a link or other file type was swapped in.
    bool swapped() const { return m_swapped; }

    const FilePlace &place() const { return m_place; }
    int folder() const { return m_folder.descriptor(); }
    int descriptor() const { return m_file.descriptor(); }

    // The name still names the file held, and the file is still `identity`.
    bool stillIs(const FileIdentity &identity) const;

private:
    FilePlace m_place;
    PosixFile m_folder;
    PosixFile m_file;
    bool m_swapped = false;
};
