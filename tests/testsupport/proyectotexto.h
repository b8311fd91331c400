#ifndef PROYECTOTEXTO_H
#define PROYECTOTEXTO_H

#include <QString>
#include <memory>

class XmlHandler;

namespace TestSupport {

// A project document built from a few lines of text, for tables of small
// models. Lines, in any order after the machine they belong to:
//   maquina NOMBRE                  starts a machine
//   estado NOMBRE                   a state of it (states are also made on first mention)
//   inicial ESTADO [/ ACCIONES]     its initial state and the reset's actions
//   DESDE -> HASTA : DISPARADOR [/ ACCIONES]
//   eventos A B, acciones f() g(), variables x y, constantes tope
// The constants TRUE and FALSE come first, as in a new project; author
// "ANA", date "01-02-2024 10:00:00", project name "P".
std::unique_ptr<XmlHandler> proyectoDesdeTexto(const QString &texto);

} // namespace TestSupport

#endif // PROYECTOTEXTO_H
