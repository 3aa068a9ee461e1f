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
    Drawn = 'D',     // the areas after it as drawn at the recording's own size: see below
};
// A gradient's tail: spread, coordinate mode, interpolation mode, stop count, the stops
// (position, colour), and the brush's transform.
//
// Drawn: tile side and tile count (16 bits each), each tile's left and top in pixels (16
// bits each), then every tile's premultiplied 0xAARRGGBB pixels, row by row. Tiles the
// areas leave clear are left out. Drawn at its own size, a recording ends with the tiles;
// at any other, with the areas.
constexpr int kMaxTileSide = 64;

} // namespace velo::ui::recording
