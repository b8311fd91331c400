#ifndef VENTANAPRUEBA_H
#define VENTANAPRUEBA_H

#include "mainwindow.h"
#include "modalscript.h"

#include <QPointF>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QAbstractItemView;
class QAction;
class QGraphicsView;

// The window suites' shared set-up: a shown main window of the size Vireo
// starts with and a temporary folder for its projects, with the gestures and
// dialog answers that those suites repeat.
class VentanaPrueba
{
public:
    VentanaPrueba();
    ~VentanaPrueba();

    MainWindow &operator*() const { return *m_ventana; }
    MainWindow *operator->() const { return m_ventana.get(); }
    // A path inside the temporary folder.
    QString ruta(const QString &relativo = QString()) const;
    QAction *accion(const char *nombre) const;
    template<typename T> T *hijo(const char *nombre) const
    {
        return m_ventana->findChild<T *>(QLatin1String(nombre));
    }

    // "Nuevo Proyecto" named nombre in the folder carpeta (relative to the
    // temporary one); true when the project is open.
    bool crear(const QString &nombre, const QString &carpeta = QString(), const QString &autor = QString());
    // Copies tests/data/<relativo> into the temporary folder and opens it.
    bool abrirDato(const QString &relativo);
    // The project as it would be saved now.
    QByteArray bytes() const;
    // Triggers the action with the script answering its dialogs; true when
    // every answer was used.
    bool comando(const char *nombre, ModalScript &script) const;

    // Mouse gestures on the active machine's view, in scene coordinates.
    QGraphicsView *vista() const;
    void clic(const QPointF &en) const;
    void dobleClic(const QPointF &en) const;
    void arrastrar(const QPointF &desde, const QPointF &hasta) const;
    // Clicks the first row of a list, table or tree that shows texto,
    // scrolled into view; doble adds a double click (a view takes one only
    // after the press of a first click).
    static void clicEnFila(QAbstractItemView *vista, const QString &texto, bool doble = true);
    // What the menu that pops up while run runs offers ("|" for a
    // separator); the menu is closed at once.
    static QStringList menuDurante(const std::function<void()> &run);

    // Dialog answers: a path typed into a file dialog, a name typed into a
    // name dialog, a named button of any dialog.
    static ModalScript::Handler elegirArchivo(const QString &ruta);
    static ModalScript::Handler nombrar(const QString &nombre);
    static ModalScript::Handler pulsar(const char *boton);

private:
    QTemporaryDir m_carpeta;
    std::unique_ptr<MainWindow> m_ventana;
};

#endif // VENTANAPRUEBA_H
