#include "imageplugins.h"

#include <QCoreApplication>
#include <QStringList>

namespace ImagePlugins {

namespace {
QStringList g_hidden; // the library paths builtInOnly() took away
bool g_off = false;
} // namespace

void builtInOnly()
{
    if (g_off)
        return;
    g_hidden = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths(QStringList());
    g_off = true;
}

void allow()
{
    if (!g_off)
        return;
    QCoreApplication::setLibraryPaths(g_hidden);
    g_off = false;
}

} // namespace ImagePlugins
