#pragma once
// What the image picker shows of one folder: its sub-folders, then its image files, each group
// in plain character order ("B" before "a"), hidden names included.

#include <QString>
#include <QStringList>

namespace FolderListing {

// The picker's two storage roots, as phone paths; they lie under the device root.
inline const char *const MemoryCard = "/mmc/mmca1/";
inline const char *const PhoneMemory = "/ezxlocal/download/mystuff/";

// Where a folder of the picker really is: the two storage roots (and anything below them) are
// phone paths under the device root; every other folder is the machine's own file system.
QString resolve(const QString &folder);

// The names of image files the picker offers.
QString imageFilter();

struct Listing
{
    bool readable = false;
    QString canonicalPath;  // "/" for the root, otherwise without trailing "/"
    bool parentRowFirst = false; // no ".." came from the folder: a parent row goes on top
    QStringList folders;    // in display order; ".." stands for the parent row
    QStringList imageNames; // file names, in display order
    QStringList imagePaths; // the absolute path of each image, "<folder>/<name>"
};

// Lists a folder of the machine; `nameFilter` selects the folders' names ("*" in the picker).
// Phone paths go through resolve() first.
Listing list(const QString &folder, const QString &nameFilter = QStringLiteral("*"));

// "<current>/<name>" as the picker builds it; "/<name>" at the root.
QString join(const QString &current, const QString &name);

} // namespace FolderListing
