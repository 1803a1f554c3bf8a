#pragma once

#include <QString>
#include <vector>

#include "core/canvas/canvas.h"
#include "core/render/surface.h"

namespace quill::testing {

// One drawing call as a renderer made it.
struct SurfaceCall {
  enum class Kind { Line, LineTo, PSet, DrawStyle, CurrentX, CurrentY, Print };
  Kind kind;
  // Line and LineTo: from (x1, y1) to (x2, y2); a LineTo's start is the current position it
  // continued from. PSet: (x1, y1). CurrentX: x1. CurrentY: y1. Print: the text's top-left
  // corner, the current position, at (x1, y1).
  float x1 = 0;
  float y1 = 0;
  float x2 = 0;
  float y2 = 0;
  Rgb color = 0;
  DrawStyle style = DrawStyle::Solid;  // the style set for DrawStyle, the style in force for lines
  QString text;                        // Print
};

// A drawing surface that draws nothing and keeps every call, with the current position kept as
// the canvas keeps it.
class RecordingSurface {
 public:
  using Kind = SurfaceCall::Kind;

  void line(float x1, float y1, float x2, float y2, Rgb color) {
    calls.push_back({Kind::Line, x1, y1, x2, y2, color, style_, {}});
    moveTo(x2, y2);
  }
  void lineTo(float x2, float y2, Rgb color) {
    calls.push_back({Kind::LineTo, currentX_, currentY_, x2, y2, color, style_, {}});
    moveTo(x2, y2);
  }
  void pset(float x, float y, Rgb color) {
    calls.push_back({Kind::PSet, x, y, 0, 0, color, style_, {}});
    moveTo(x, y);
  }
  void setDrawStyle(DrawStyle style) {
    calls.push_back({Kind::DrawStyle, 0, 0, 0, 0, 0, style, {}});
    style_ = style;
  }
  void setCurrentX(float x) {
    calls.push_back({Kind::CurrentX, x, 0, 0, 0, 0, style_, {}});
    currentX_ = x;
  }
  void setCurrentY(float y) {
    calls.push_back({Kind::CurrentY, 0, y, 0, 0, 0, style_, {}});
    currentY_ = y;
  }
  void print(const QString& text) {
    calls.push_back({Kind::Print, currentX_, currentY_, 0, 0, 0, style_, text});
  }

  // The calls of one kind, in order.
  std::vector<SurfaceCall> only(Kind kind) const {
    std::vector<SurfaceCall> picked;
    for (const SurfaceCall& call : calls) {
      if (call.kind == kind) picked.push_back(call);
    }
    return picked;
  }
  // Line and LineTo calls, in order.
  std::vector<SurfaceCall> lines() const {
    std::vector<SurfaceCall> picked;
    for (const SurfaceCall& call : calls) {
      if (call.kind == Kind::Line || call.kind == Kind::LineTo) picked.push_back(call);
    }
    return picked;
  }

  std::vector<SurfaceCall> calls;

 private:
  void moveTo(float x, float y) {
    currentX_ = x;
    currentY_ = y;
  }
  DrawStyle style_ = DrawStyle::Solid;
  float currentX_ = 0;
  float currentY_ = 0;
};

static_assert(DrawingSurface<RecordingSurface>);

}  // namespace quill::testing
