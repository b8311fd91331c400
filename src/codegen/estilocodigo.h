#ifndef ESTILOCODIGO_H
#define ESTILOCODIGO_H

// The two shapes of generated C: one switch per machine, or one function per
// state called through a table of function pointers.
enum class EstiloCodigo { Switch, PunteroAFuncion };

#endif // ESTILOCODIGO_H
