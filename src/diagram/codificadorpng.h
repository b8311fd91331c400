#ifndef CODIFICADORPNG_H
#define CODIFICADORPNG_H

#include <QByteArray>

class QImage;

// Writes a picture as an 8-bit RGB PNG, built for diagrams: mostly flat
// colour on white. Each row is written as its difference from the pixel to
// its left (PNG filter "Sub"), which turns every flat run into zeros, and
// compressed with zlib's run-length strategy. That takes a fraction of the
// time of a general PNG writer trying every filter on every row, and the file
// stays small. Transparency is not kept: a diagram is drawn on white.
class CodificadorPng
{
public:
    // Empty when the picture is null or zlib fails.
    static QByteArray codificar(const QImage &imagen);
};

#endif // CODIFICADORPNG_H
