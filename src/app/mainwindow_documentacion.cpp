#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "savefile.h"
#include "xmlhandler.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace {

const QString kLogo = QStringLiteral("logoAlderhall.png");
const QString kPagina = QStringLiteral("indexDoc.html");

QString nombreImagen(int maquina)
{
    return QStringLiteral("pruebaPantalla") + QString::number(maquina) + QStringLiteral(".png");
}

QTextCharFormat formato(const QColor &color, int puntos)
{
    QTextCharFormat formato;
    formato.setForeground(color);
    formato.setFontPointSize(puntos);
    formato.setFontWeight(QFont::Bold);
    return formato;
}

void saltos(QTextCursor &cursor, int cantidad)
{
    for (int i = 0; i < cantidad; ++i)
        cursor.insertText(QStringLiteral("\n"));
}

// What the view shows at its zoom and scroll position, frame and scroll bars
// included, as PNG bytes; empty when there is nothing to picture.
QByteArray imagenDeVista(QGraphicsView *vista)
{
    if (!vista || vista->size().isEmpty())
        return QByteArray();
    QImage imagen(vista->size(), QImage::Format_ARGB32_Premultiplied);
    imagen.fill(vista->palette().window().color());
    // The widget's render, not QGraphicsView's, which would draw the scene
    // alone without the frame and the scroll bars.
    static_cast<QWidget *>(vista)->render(&imagen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!imagen.save(&buffer, "PNG"))
        return QByteArray();
    return bytes;
}

bool escribir(const QString &ruta, const QByteArray &contenido)
{
    return !contenido.isEmpty() && guardarArchivoSeguro(ruta, contenido);
}

// A first copy of the logo is kept: the user may have replaced it.
bool copiarLogo(const QString &ruta)
{
    if (QFileInfo::exists(ruta))
        return true;
    QFile recurso(QStringLiteral(":/img/img/logoAlderhall.png"));
    if (!recurso.open(QIODevice::ReadOnly))
        return false;
    return escribir(ruta, recurso.readAll());
}

QByteArray html(QTextDocument &documento)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter escritor(&buffer, "HTML");
    if (!escritor.write(&documento))
        return QByteArray();
    return bytes;
}

// The page: logo, title, description, project data, one heading and picture
// per machine, then the events and the actions that are not assignments.
void escribirPagina(QTextDocument &pagina, const XmlHandler &datos, const QStringList &maquinas)
{
    const QTextCharFormat titulo = formato(Qt::darkBlue, 20);
    const QTextCharFormat encabezado = formato(Qt::red, 12);
    const QTextCharFormat cuerpo = formato(Qt::black, 12);
    QTextCursor cursor(&pagina);

    cursor.insertImage(kLogo);
    saltos(cursor, 2);
    cursor.insertText(QStringLiteral("Vireo - Alderhall\n"), titulo);
    saltos(cursor, 1);
    cursor.insertText(
        QStringLiteral("Software didactico-profesional para modelado, depuracion e implementacion "
                       "de aplicaciones industriales sobre sistemas embebidos"),
        cuerpo);
    saltos(cursor, 2);
    cursor.insertText(QStringLiteral("Proyecto: ") + datos.getContenidoGeneral(QStringLiteral("nombre")) +
                          QLatin1Char('\n'),
                      cuerpo);
    cursor.insertText(QStringLiteral("Autor: ") + datos.getContenidoGeneral(QStringLiteral("autores")) +
                          QLatin1Char('\n'),
                      cuerpo);
    cursor.insertText(QStringLiteral("Modificacion: ") +
                          datos.getContenidoGeneral(QStringLiteral("modificacion")) + QLatin1Char('\n'),
                      cuerpo);
    saltos(cursor, 2);

    for (int k = 0; k < maquinas.size(); ++k) {
        cursor.insertText(QStringLiteral("Diagrama de estados - ") + maquinas.at(k), encabezado);
        saltos(cursor, 3);
        cursor.insertImage(nombreImagen(k));
        saltos(cursor, 2);
    }
    saltos(cursor, 3);

    cursor.insertText(QStringLiteral("Listado de eventos"), encabezado);
    saltos(cursor, 1);
    for (const QString &evento : datos.getNombresEventosDefinidos()) {
        cursor.insertText(QStringLiteral("void ") + evento + QStringLiteral("() ;"), cuerpo);
        saltos(cursor, 1);
    }
    cursor.insertText(QStringLiteral("\n\nListado de acciones"), encabezado);
    saltos(cursor, 1);
    for (const QString &accion : datos.getNombresAccionesDefinidas()) {
        if (accion.contains(QLatin1Char('=')))
            continue;
        cursor.insertText(QStringLiteral("void ") + accion + QStringLiteral(" ;"), cuerpo);
        saltos(cursor, 1);
    }
}

} // namespace

// The folder doc_<project> beside the project holds one picture per machine,
// the logo and indexDoc.html. The page refers to the pictures by their names
// alone, so the folder keeps working when it is moved or sent elsewhere.
void MainWindow::CrearDocumentacion()
{
    if (!m_datosXml)
        return;
    const QString titulo = m_datosXml->getContenidoGeneral(QStringLiteral("nombre"));
    const QString carpeta =
        m_datosXml->getContenidoGeneral(QStringLiteral("carpeta")) + QStringLiteral("/doc_") + titulo;
    QDir().mkpath(carpeta);

    QString fallido;
    for (int i = 0; i < m_sceneList.size() && fallido.isEmpty(); ++i) {
        const QString ruta = carpeta + QLatin1Char('/') + nombreImagen(i);
        if (!escribir(ruta, imagenDeVista(viewOf(m_sceneList.at(i)))))
            fallido = ruta;
    }
    if (fallido.isEmpty() && !copiarLogo(carpeta + QLatin1Char('/') + kLogo))
        fallido = carpeta + QLatin1Char('/') + kLogo;
    if (fallido.isEmpty()) {
        QStringList maquinas;
        for (const DiagramScene *scene : qAsConst(m_sceneList))
            maquinas.append(scene->name());
        QTextDocument pagina;
        escribirPagina(pagina, *m_datosXml, maquinas);
        const QString ruta = carpeta + QLatin1Char('/') + kPagina;
        if (!escribir(ruta, html(pagina)))
            fallido = ruta;
    }
    if (!fallido.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Generar Documentación"),
                             QStringLiteral("No se pudo escribir el archivo \n%1").arg(fallido));
        return;
    }
    QMessageBox::information(this, QStringLiteral("Generar Documentación"),
                             QStringLiteral("Se ha creado con éxito la documentación del proyecto."));
}

void MainWindow::on_actionGenerarDocumentacion_triggered()
{
    CrearDocumentacion();
}
