#include "commands.h"

#include <QTextStream>

int cmdGenerate(const QStringList &args)
{
    Q_UNUSED(args)
    QTextStream(stderr) << "Sin implementar\n";
    return 2;
}
