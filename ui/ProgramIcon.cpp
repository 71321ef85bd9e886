#include "ProgramIcon.h"

#include <QDir>

QIcon ProgramIcon()
{
    // Every size the build put in the resources; each file tells its size.
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& name : folder.entryList(QDir::Files))
        icon.addFile(folder.filePath(name));
    return icon;
}
