#ifndef PROYECTODESCRITO_H
#define PROYECTODESCRITO_H

#include <QByteArray>
#include <QString>
#include <memory>

class XmlHandler;

// Project files written from a few lines, for tests that need many small
// models. Each line is one of
//   maquina NOMBRE                 starts a machine
//   inicial ESTADO [/ ACCIONES]    its initial state
//   estado ESTADO                  a state (states are also made by arrows)
//   DESDE -> HASTA : DISPARADOR [/ ACCIONES]
//   eventos|acciones|variables|constantes NOMBRE...   more catalogue entries
// in file order; ACCIONES are joined with "," as stored. Events, actions and
// variables are declared from what the triggers and actions use and from the
// catalogue lines, in order of first mention; TRUE and FALSE are the first
// constants.
namespace ProyectoDescrito {

QByteArray vro(const QString &descripcion);
bool escribir(const QString &ruta, const QString &descripcion);
// Loads the description into a document; false if it did not load.
bool cargar(const QString &descripcion, XmlHandler *datos);
// A document loaded from a project file (a path ending in ".vro"; a relative
// one is under tests/data) or from a description; null if it did not load.
std::unique_ptr<XmlHandler> documento(const QString &proyecto);

} // namespace ProyectoDescrito

#endif // PROYECTODESCRITO_H
