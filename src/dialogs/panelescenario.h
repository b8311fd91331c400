#ifndef PANELESCENARIO_H
#define PANELESCENARIO_H

#include <QWidget>

class Escenario;

namespace Ui {
class PanelEscenario;
}

// The steps of a scenario being replayed, one row each ("Línea", "Paso",
// "Resultado"): a check turns green when it held and red, with what was
// expected and what was found, when it did not; the summary below gives the
// checks passed and the coverage once the run ends.
class PanelEscenario : public QWidget
{
    Q_OBJECT

public:
    enum class Marca { Hecho, Cumplido, Fallido };

    explicit PanelEscenario(QWidget *parent = nullptr);
    ~PanelEscenario() override;

    // Lists every step of the scenario, none run yet.
    void mostrar(const Escenario &escenario);
    // Marks step `paso` (its index in the scenario) as run and scrolls to it.
    void marcar(int paso, Marca marca, const QString &resultado);
    void setResumen(const QString &resumen);
    QString resumen() const;
    // The rows as the user reads them, "línea|paso|resultado", for tests.
    QStringList filas() const;
    int fallidos() const;

private:
    Ui::PanelEscenario *ui;
};

#endif // PANELESCENARIO_H
