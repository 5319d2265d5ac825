#pragma once
// The phone's system icons. A name such as "fm_pic_small.g" stands for the picture
// programDir() + "resource/sysicons/fm_pic_small.png". An icon whose picture is missing or
// cannot be read comes back as a small drawn placeholder, never as an empty pixmap.

#include <QPixmap>
#include <QString>

class RES_ICON_Reader
{
public:
    RES_ICON_Reader() = default;

    QPixmap getIcon(const QString &name) const;

    // The picture file that stands for an icon name.
    static QString iconPath(const QString &name);
    static QPixmap placeholder();
};
