#include "commands.h"

#include <QTextStream>

int cmdMonitor(const QStringList &args)
{
    Q_UNUSED(args)
    QTextStream(stderr) << "Sin implementar\n";
    return 2;
}

int cmdSend(const QStringList &args)
{
    Q_UNUSED(args)
    QTextStream(stderr) << "Sin implementar\n";
    return 2;
}
