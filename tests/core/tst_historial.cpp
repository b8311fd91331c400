// The undo history's bounds and clean state, the recovery file format, the
// check that a file is a project before it is opened, and values made only of
// blanks.
#include "archivorecuperacion.h"
#include "historialproyecto.h"
#include "lectorproyecto.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray doc(int n, int size = 10)
{
    return QByteArray::number(n).leftJustified(size, '.');
}

QByteArray proyecto(const QString &nombre)
{
    XmlHandler xml(nombre, XmlHandler::NUEVO_XML_DATOS);
    xml.setContenidoGeneral(QStringLiteral("nombre"), nombre);
    return xml.toByteArray();
}

} // namespace

class TstHistorial : public QObject
{
    Q_OBJECT

private slots:
    void pasosYEstadoLimpio();
    void limites_data();
    void limites();
    void lectorProyecto_data();
    void lectorProyecto();
    void valoresDeBlancosSeLeenComoSeEscribieron();
    void recuperacionIdaYVuelta();
    void recuperacionDanada_data();
    void recuperacionDanada();
    void laSesionEnCursoNoSeOfrece();
};

void TstHistorial::pasosYEstadoLimpio()
{
    HistorialProyecto h;
    h.reiniciar(doc(0));
    QVERIFY(!h.modificado());
    QVERIFY(!h.registrar(QStringLiteral("nada"), doc(0)));
    QVERIFY(h.registrar(QStringLiteral("Mover estado"), doc(1)));
    QVERIFY(h.registrar(QStringLiteral("Nuevo estado"), doc(2)));
    QVERIFY(h.modificado());
    QCOMPARE(h.textoDeshacer(), QStringLiteral("Nuevo estado"));
    QCOMPARE(h.deshacer(), doc(1));
    QCOMPARE(h.textoRehacer(), QStringLiteral("Nuevo estado"));
    QCOMPARE(h.deshacer(), doc(0));
    QVERIFY(!h.modificado());
    QVERIFY(!h.puedeDeshacer());
    QCOMPARE(h.rehacer(), doc(1));

    // Saved in the middle, then undone past it and redone back: clean again.
    h.marcarGuardado(doc(1));
    QCOMPARE(h.deshacer(), doc(0));
    QVERIFY(h.modificado());
    QCOMPARE(h.rehacer(), doc(1));
    QVERIFY(!h.modificado());

    // A new step after undoing forgets the steps ahead, and the clean state
    // with them when it was one of them.
    h.deshacer();
    QVERIFY(h.registrar(QStringLiteral("Eliminar estado"), doc(3)));
    QVERIFY(!h.puedeRehacer());
    QCOMPARE(h.pasos(), 1);
    QCOMPARE(h.deshacer(), doc(0));
    QVERIFY(h.modificado());
    h.olvidarGuardado();
    QVERIFY(h.modificado());
}

void TstHistorial::limites_data()
{
    QTest::addColumn<int>("maxPasos");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<int>("tamano");
    QTest::addColumn<int>("pasos");
    QTest::addColumn<int>("quedan");
    QTest::newRow("por pasos") << 100 << 1 << 0 << 130 << 100;
    QTest::newRow("por bytes") << 100 << 0 << 1000 << 20 << 7;
    QTest::newRow("un estado mayor que el límite se conserva") << 100 << 0 << 10000 << 3 << 0;
}

void TstHistorial::limites()
{
    QFETCH(int, maxPasos);
    QFETCH(int, maxBytes);
    QFETCH(int, tamano);
    QFETCH(int, pasos);
    QFETCH(int, quedan);
    const qint64 limite = maxBytes ? HistorialProyecto::kMaxBytes : 8 * 1000;
    HistorialProyecto h(maxPasos, limite);
    h.reiniciar(doc(0, qMax(tamano, 10)));
    for (int i = 1; i <= pasos; ++i)
        QVERIFY(h.registrar(QStringLiteral("paso %1").arg(i), doc(i, qMax(tamano, 10))));
    QCOMPARE(h.pasos(), quedan);
    QVERIFY(h.pasos() == 0 || h.bytes() <= limite);
    // The oldest went first: undoing all the way reaches the oldest kept.
    while (h.puedeDeshacer())
        h.deshacer();
    QCOMPARE(h.actual(), doc(pasos - quedan, qMax(tamano, 10)));
    // The file's state was dropped: nothing left is clean.
    QVERIFY(h.modificado());
}

void TstHistorial::lectorProyecto_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("proyecto") << proyecto(QStringLiteral("P")) << QString();
    QTest::newRow("truncado") << QByteArray("<?xml version=\"1.0\"?>\n<proyecto>\n  <general>")
                              << QStringLiteral("no es un archivo XML válido (línea 3, columna 11: ");
    QTest::newRow("otro xml") << QByteArray("<html><body/></html>")
                              << QStringLiteral("no es un proyecto de Vireo");
    QTest::newRow("sin nombre") << QByteArray("<proyecto><general><autores/></general></proyecto>")
                                << QStringLiteral("no es un proyecto de Vireo");
    QTest::newRow("nombre fuera de general")
        << QByteArray("<proyecto><maquinas><nombre>x</nombre></maquinas></proyecto>")
        << QStringLiteral("no es un proyecto de Vireo");
    QTest::newRow("vacío") << QByteArray() << QStringLiteral("no es un archivo XML válido");
}

void TstHistorial::lectorProyecto()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, motivo);
    QString leido;
    const std::unique_ptr<XmlHandler> documento = LectorProyecto::leerBytes(contenido, &leido);
    QCOMPARE(documento != nullptr, motivo.isEmpty());
    QVERIFY2(leido.startsWith(motivo), qPrintable(leido));
    if (documento)
        QCOMPARE(documento->toByteArray(), contenido);
}

void TstHistorial::valoresDeBlancosSeLeenComoSeEscribieron()
{
    XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
    xml.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("P"));
    xml.setContenidoGeneral(QStringLiteral("autores"), QStringLiteral(" "));
    xml.addNuevoEvento(QStringLiteral("\t"));
    xml.addNuevaAccion(QStringLiteral("  \t "));
    const QByteArray bytes = xml.toByteArray();
    const std::unique_ptr<XmlHandler> leido = LectorProyecto::leerBytes(bytes, nullptr);
    QVERIFY(leido);
    QCOMPARE(leido->getContenidoGeneral(QStringLiteral("autores")), QStringLiteral(" "));
    QCOMPARE(leido->getNombresEventosDefinidos(), QStringList{QStringLiteral("\t")});
    QCOMPARE(leido->getNombresAccionesDefinidas(), QStringList{QStringLiteral("  \t ")});
    // Indentation is still no value.
    QCOMPARE(leido->cantidadMaquinas(), 0);
    QCOMPARE(leido->toByteArray(), bytes);
}

void TstHistorial::recuperacionIdaYVuelta()
{
    QTemporaryDir dir;
    const QByteArray contenido = proyecto(QStringLiteral("Semáforo"));
    const QString original = QStringLiteral("/home/ana/mis proyectos/Semáforo\n.vro");
    {
        ArchivoRecuperacion archivo(dir.path());
        QVERIFY(archivo.escribir(original, contenido));
        QVERIFY(archivo.existe());
        const QByteArray bruto = TestSupport::readFile(archivo.ruta());
        QVERIFY(bruto.startsWith("VIREO-RECUPERACION 1\n"));
        QVERIFY(bruto.endsWith(contenido));
        const ArchivoRecuperacion::Pendiente leido = ArchivoRecuperacion::leer(archivo.ruta());
        QCOMPARE(leido.original, original);
        QCOMPARE(leido.proyecto, contenido);
        QVERIFY(leido.problema.isEmpty());
    }
    // A session that ends normally leaves nothing to offer.
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TstHistorial::recuperacionDanada_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("problema");
    QTest::newRow("vacío") << QByteArray() << "no es un archivo de recuperación de Vireo o está incompleto";
    QTest::newRow("otra cosa") << QByteArray("<proyecto/>")
                               << "no es un archivo de recuperación de Vireo o está incompleto";
    QTest::newRow("cortado en la cabecera") << QByteArray("VIREO-RECUPERACION 1\n/a/b.vro")
                                            << "no es un archivo de recuperación de Vireo o está incompleto";
    QTest::newRow("proyecto cortado") << ArchivoRecuperacion::componer("/a/b.vro", proyecto("b").left(150))
                                      << "el proyecto que guarda está dañado: no es un archivo XML válido";
}

// Damaged files are listed with their reason, never skipped nor fatal.
void TstHistorial::recuperacionDanada()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, problema);
    QTemporaryDir dir;
    QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("recuperacion-1-2-3.vrec")), contenido));
    const QList<ArchivoRecuperacion::Pendiente> pendientes = ArchivoRecuperacion::pendientes(dir.path());
    QCOMPARE(pendientes.size(), 1);
    QVERIFY2(pendientes.first().problema.startsWith(problema), qPrintable(pendientes.first().problema));
    ArchivoRecuperacion::descartar(pendientes.first());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TstHistorial::laSesionEnCursoNoSeOfrece()
{
    QTemporaryDir dir;
    ArchivoRecuperacion enCurso(dir.path());
    QVERIFY(enCurso.escribir(QStringLiteral("/a/b.vro"), proyecto(QStringLiteral("b"))));
    QVERIFY(ArchivoRecuperacion::pendientes(dir.path()).isEmpty());
    QVERIFY(enCurso.existe());
}

QTEST_GUILESS_MAIN(TstHistorial)
#include "tst_historial.moc"
