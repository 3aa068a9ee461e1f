#pragma once

#include <QtGlobal>

// The layout of a recording, shared by its reader and its writer. Numbers are stored as
// the machine holds them; the program and the build that records its artwork are one kind
// of machine.
namespace velo::ui::recording {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "recordings are read in place as little-endian");

constexpr char kMagic[4] = {'V', 'P', 'I', 'C'};
constexpr quint32 kVersion = 1;

// Each record starts with its tag.
enum Tag : quint8 {
    Transform = 'T', // six floats: m11 m12 m21 m22 dx dy
    Opacity = 'O',   // a float
    Solid = 'S',     // a colour, 0xAARRGGBB
    Linear = 'L',    // start and final point, then the gradient's tail
    Radial = 'R',    // centre, radius, focal point, focal radius, then the tail
    Path = 'P',      // fill rule, element count, the element types, then their points
    Antialias = 'A', // a byte: 1 to smooth the edges of the areas after it, 0 not to
};
// A gradient's tail: spread, coordinate mode, interpolation mode, stop count, the stops
// (position, colour), and the brush's transform.

} // namespace velo::ui::recording
