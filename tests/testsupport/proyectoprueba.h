#ifndef PROYECTOPRUEBA_H
#define PROYECTOPRUEBA_H

#include <QColor>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>

class Arrow;
class DiagramItem;
class DiagramScene;
class MainWindow;
class QWidget;

// Builds projects in a MainWindow the way the editing commands leave them,
// for tests that need a project without drawing it.
namespace ProyectoPrueba {

// Answers the new-project dialog: fills it and presses "Crear" (and
// "Cancelar" if the dialog refused).
std::function<void(QWidget *)> rellenarDialogo(const QString &carpeta, const QString &nombre,
                                               const QString &autor = QString());
// Runs "Nuevo Proyecto" and fills its dialog; true when the project is open.
bool crear(MainWindow &ventana, const QString &carpeta, const QString &nombre,
           const QString &autor = QString());
// Adds a machine window and returns its scene.
DiagramScene *maquina(MainWindow &ventana, const QString &nombre);
DiagramItem *estado(DiagramScene *scene, const QString &nombre, const QPointF &pos,
                    const QColor &color = QColor(QStringLiteral("lightcyan")));
Arrow *transicion(DiagramScene *scene, DiagramItem *desde, DiagramItem *hasta, const QString &evento,
                  const QStringList &acciones);
// Makes estado the initial state, with the marker where the initial-state
// command puts it, and returns the marker's arrow.
Arrow *inicial(DiagramScene *scene, DiagramItem *estado,
               const QStringList &acciones = QStringList(QString()));

// Every fact about the open machines that a save and a reopen must keep, one
// line each, with numbers written as the project file writes them.
QStringList descripcion(const MainWindow &ventana);

} // namespace ProyectoPrueba

#endif // PROYECTOPRUEBA_H
