#ifndef FORMATROWS_H
#define FORMATROWS_H

// The rows of line_format()'s table, each defined beside its kin; use
// line_format() rather than these.

#include "probeformat.h"

const ProbeFormat &sv_format();
const ProbeFormat &sv_mm_format();
const ProbeFormat &p_t_sv_format();
const ProbeFormat &t_c_s_sv_format();
const ProbeFormat &tagged_format();
const ProbeFormat &psgds_format();
const ProbeFormat &pssv_format();

#endif
