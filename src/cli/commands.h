#ifndef COMMANDS_H
#define COMMANDS_H

#include <QStringList>

// Each vireo-cli command takes the arguments after its own name and returns
// the process exit code. Messages go to stdout/stderr in Spanish.
int cmdGenerate(const QStringList &args);
int cmdVerify(const QStringList &args);
int cmdMonitor(const QStringList &args);
int cmdSend(const QStringList &args);
// Needs a QApplication (the diagrams are graphics items); no display.
int cmdImagen(const QStringList &args);
int cmdDepurar(const QStringList &args);
int cmdSimulate(const QStringList &args);
int cmdCheck(const QStringList &args);

#endif // COMMANDS_H
