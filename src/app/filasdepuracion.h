#ifndef FILASDEPURACION_H
#define FILASDEPURACION_H

#include "tramaenlace.h"

#include <QAbstractTableModel>
#include <QTime>
#include <QVector>
#include <deque>

// The rows of the "Depuración" panel: one per line the board sent, the
// latest MaxFilas only. A row keeps what its line resolved to and is turned
// into text when the panel shows it: a board sending thousands of lines a
// second adds hundreds of rows per refresh, of which a screenful is seen.
class FilasDepuracion : public QAbstractTableModel
{
    Q_OBJECT

public:
    // A board logging thousands of transitions a second must not grow the
    // panel without end.
    static constexpr int MaxFilas = 500;

    struct Fila
    {
        QTime hora;
        // False for a line whose numbers name no transition of the project.
        bool enModelo = true;
        Reporte reporte;
        QByteArray linea;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Appends filas after the oldest rows that no longer fit are dropped;
    // returns the number of the first row added.
    int agregar(QVector<Fila> filas);
    void vaciar();
    bool enModelo(int fila) const { return m_filas.at(size_t(fila)).enModelo; }

private:
    // Rows leave at the front as they arrive at the back.
    std::deque<Fila> m_filas;
};

#endif // FILASDEPURACION_H
