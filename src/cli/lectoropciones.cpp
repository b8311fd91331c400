#include "lectoropciones.h"

LectorOpciones::LectorOpciones(const QStringList &args, const QStringList &conValor,
                               const QStringList &banderas)
{
    for (int i = 0; i < args.size() && m_problema == Ninguno; ++i) {
        const QString &arg = args.at(i);
        const QString nombre = arg.section(QLatin1Char('='), 0, 0);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            m_ayuda = true;
        } else if (banderas.contains(arg)) {
            m_banderas.insert(arg);
        } else if (conValor.contains(arg)) {
            if (i + 1 >= args.size())
                m_problema = FaltaValor;
            else
                m_valores.insert(arg, args.at(++i));
        } else if (conValor.contains(nombre) && arg.startsWith(QLatin1String("--"))) {
            m_valores.insert(nombre, arg.mid(nombre.size() + 1));
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            m_problema = Desconocida;
        } else {
            m_posicionales.append(arg);
        }
        if (m_problema != Ninguno)
            m_argumento = arg;
    }
}
