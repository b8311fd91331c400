#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "codificadorpng.h"
#include "imagendiagrama.h"
#include "savefile.h"
#include "xmlhandler.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <future>

namespace {

const QString kLogo = QStringLiteral("logoAlderhall.png");
const QString kPagina = QStringLiteral("indexDoc.html");
// Each picture holds at most this many pixels: an ordinary machine (a dozen
// states) is still drawn at twice its size, while a project of many large
// machines is documented in about a second rather than in many.
const qint64 kPixelesPorImagen = 2LL * 1024 * 1024;

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
// Each picture is drawn at ImagenDiagrama's scale and shown at the diagram's
// own size (tamanos, in scene units), so that it stays sharp when zoomed or printed.
void escribirPagina(QTextDocument &pagina, const XmlHandler &datos, const QStringList &maquinas,
                    const QList<QSizeF> &tamanos)
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
        QTextImageFormat imagen;
        imagen.setName(nombreImagen(k));
        imagen.setWidth(tamanos.value(k).width());
        imagen.setHeight(tamanos.value(k).height());
        cursor.insertImage(imagen);
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

// A machine's picture is drawn here, where its scene lives, then compressed
// and written on a thread of its own while the next machine is drawn: the
// compression takes about as long as the drawing. Two picture memories take
// turns, each reused once its file is written. Gives the first file that
// could not be written, or nothing.
QString MainWindow::escribirImagenes(const QString &carpeta, QList<QSizeF> *tamanos) const
{
    QByteArray memorias[2];
    QString rutas[2];
    std::future<bool> escrituras[2];
    QString fallido;
    const auto esperar = [&](int turno) {
        if (escrituras[turno].valid() && !escrituras[turno].get() && fallido.isEmpty())
            fallido = rutas[turno];
    };
    int i = 0;
    for (; i < m_sceneList.size(); ++i) {
        const int turno = i % 2;
        esperar(turno);
        if (!fallido.isEmpty())
            break;
        rutas[turno] = carpeta + QLatin1Char('/') + nombreImagen(i);
        const ImagenDiagrama imagen(m_sceneList.at(i), kPixelesPorImagen);
        *tamanos << imagen.area().size();
        const QImage dibujo = imagen.imagen(memorias[turno]);
        escrituras[turno] = std::async(std::launch::async, [dibujo, ruta = rutas[turno]] {
            return escribir(ruta, CodificadorPng::codificar(dibujo));
        });
    }
    esperar(i % 2);
    esperar((i + 1) % 2);
    return fallido;
}

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

    QList<QSizeF> tamanos;
    QString fallido = escribirImagenes(carpeta, &tamanos);
    if (fallido.isEmpty() && !copiarLogo(carpeta + QLatin1Char('/') + kLogo))
        fallido = carpeta + QLatin1Char('/') + kLogo;
    if (fallido.isEmpty()) {
        QStringList maquinas;
        for (const DiagramScene *scene : qAsConst(m_sceneList))
            maquinas.append(scene->name());
        QTextDocument pagina;
        escribirPagina(pagina, *m_datosXml, maquinas, tamanos);
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
