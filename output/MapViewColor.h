#pragma once
// Colour and angle models of style values. The colour operations are
// members of CGridmoorProView (GridmoorProView.h); this header adds the
// rule by which rotation angles are written.

// Which converter writes the angle: the rule differs for network nodes.
enum class AngleUse { Annotation, SubPicture, NetworkNode };

// The angle a converter writes as a style value, for the current
// SymbolType and RotateType settings. With RotateType 1, annotations and
// sub-pictures are written as geographic angles in SymbolType 3 and 4;
// network nodes as graphic angles in SymbolType 3 and geographic angles in
// SymbolType 4. Every other combination (the raw-parameter mode 2 among
// them) writes the stored angle unchanged.
double StyleAngle(double angle, AngleUse use);
