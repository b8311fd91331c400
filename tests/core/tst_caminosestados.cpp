#include "caminosestados.h"
#include "proyecto.h"
#include "proyectodescrito.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const kProyecto = "maquina M\ninicial A\n"
                              "A -> A : t\nA -> B : a\nA -> C : a\n"
                              "B -> C : b\nB -> D : x > 3 && a\nestado E\n"
                              "maquina N\ninicial P\nP -> Q : a\n";

} // namespace

class TestCaminosEstados : public QObject
{
    Q_OBJECT

private slots:
    // The self-loop leads nowhere new, the second transition on row "a" never
    // fires, and E has no way in.
    void caminos()
    {
        XmlHandler datos;
        QVERIFY(ProyectoDescrito::cargar(QString::fromUtf8(kProyecto), &datos));
        const CaminosEstados caminos(Proyecto::desdeDocumento(datos));
        QCOMPARE(caminos.lineas(), QStringList({"M A: (inicial)", "M B: a", "M C: a, b", "M D: a, x > 3 && a",
                                                "M E: inalcanzable", "N P: (inicial)", "N Q: a"}));
        QVERIFY(!caminos.alcanzable(0, 4));
        QCOMPARE(caminos.camino(0, 3), QStringList({"a", "x > 3 && a"}));
    }

    void cli()
    {
        QTemporaryDir dir;
        const QString ruta = dir.filePath(QStringLiteral("p.vro"));
        QVERIFY(ProyectoDescrito::escribir(ruta, QString::fromUtf8(kProyecto)));
        const TestSupport::CliResult salida = TestSupport::runCli({"verify", "--caminos", ruta});
        QCOMPARE(salida.exitCode, 1);
        QVERIFY2(
            salida.out.endsWith("\nCaminos desde el reset\n    M A: (inicial)\n    M B: a\n    M C: a, b\n"
                                "    M D: a, x > 3 && a\n    M E: inalcanzable\n    N P: (inicial)\n"
                                "    N Q: a\n"),
            salida.out.constData());
        QCOMPARE(TestSupport::runCli({"verify", ruta}).out.contains("Caminos"), false);
    }
};

QTEST_GUILESS_MAIN(TestCaminosEstados)
#include "tst_caminosestados.moc"
