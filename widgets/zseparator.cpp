#include "zseparator.h"

ZSeparator::ZSeparator(Qt::Orientation orientation, QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    setFrameShadow(QFrame::Sunken);
    setStyleSheet(QStringLiteral("color: #c3d3db;"));
}
