#pragma once
// The picture files a composition draws (theme pictures, weather icons), each decoded at most
// once however many items draw it.
//
// These are the suite's own pictures, PNG files as a rule: a file is read as the format its
// name says, so that the image reader does not ask every format it knows about the file; a
// file whose content is of another format, or of a format only an image plugin reads, is still
// read, by its content, with the plugins allowed (see ImagePlugins). Only regular files
// up to BoundedFile::kPictureCap are read.

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

class PictureFiles
{
public:
    // The size the file holds, read from its header; invalid when it is no readable picture.
    QSize storedSize(const QString &path);
    // The picture, decoded at `size` when given and different from its own (the aspect ratio
    // not kept, as the image reader scales); a null image when it cannot be read.
    QImage picture(const QString &path, QSize size = QSize());

    // Decodings done so far (a file decoded once at a size counts once).
    int decodings() const { return m_decodings; }

private:
    struct Entry
    {
        QSize stored;
        QHash<QSize, QImage> images; // by the size asked for, decoded on first use
    };
    Entry &entry(const QString &path);

    QHash<QString, Entry> m_entries;
    int m_decodings = 0;
};
