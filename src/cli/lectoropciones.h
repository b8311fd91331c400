#ifndef LECTOROPCIONES_H
#define LECTOROPCIONES_H

#include <QHash>
#include <QSet>
#include <QStringList>

// The arguments of a vireo-cli command: "-h" or "--help", flags, options
// that take a value ("--opcion VALOR" or "--opcion=VALOR") and the other
// arguments in order. Anything else that starts with "-" ("-" alone aside)
// is an unknown option. Each command words its own messages.
class LectorOpciones
{
public:
    enum Problema { Ninguno, FaltaValor, Desconocida };

    LectorOpciones(const QStringList &args, const QStringList &conValor, const QStringList &banderas);

    Problema problema() const { return m_problema; }
    // The option at fault.
    const QString &argumento() const { return m_argumento; }
    bool ayuda() const { return m_ayuda; }
    bool bandera(const QString &nombre) const { return m_banderas.contains(nombre); }
    // The last value given, empty when none.
    QString valor(const QString &nombre) const { return m_valores.value(nombre); }
    const QStringList &posicionales() const { return m_posicionales; }

private:
    Problema m_problema = Ninguno;
    QString m_argumento;
    bool m_ayuda = false;
    QSet<QString> m_banderas;
    QHash<QString, QString> m_valores;
    QStringList m_posicionales;
};

#endif // LECTOROPCIONES_H
