#include "ProgramIcon.h"

#include <QDir>

namespace {

QIcon LoadProgramIcon()
{
    // Every size the build put in the resources; each file tells its size.
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& name : folder.entryList(QDir::Files))
        icon.addFile(folder.filePath(name));
    return icon;
}

} // namespace

QIcon ProgramIcon()
{
    // One icon for the whole run. Every icon built anew is a new key in Qt's
    // pixmap cache for each size drawn from it, and the winner window is
    // made again for every match.
    static const QIcon icon = LoadProgramIcon();
    return icon;
}
