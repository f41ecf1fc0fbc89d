#pragma once
// The rule by which rotation angles are written as style values.

// Which converter writes the angle: the rule differs for network nodes.
enum class AngleUse { Annotation, SubPicture, NetworkNode };

// Rotation settings of a run: RotateType 1 asks for geographic angles.
struct AngleModel {
  int symbolType = 0;
  int rotateType = 0;

  // The angle a converter writes as a style value. With rotateType 1,
  // annotations and sub-pictures are written as geographic angles in style
  // modes 3 and 4; network nodes as graphic angles in mode 3 and geographic
  // angles in mode 4. Every other combination (the raw-parameter mode 2
  // among them) writes the stored angle unchanged.
  double StyleAngle(double angle, AngleUse use) const;
  // The angle column of the code, legend and legend-board modes:
  // geographic when rotateType is 1, else as stored.
  double CodedAngle(double angle) const;
};
