#include "core/picture/svg_picture.h"

#include <QCoreApplication>
#include <QXmlStreamWriter>
#include <optional>

#include "core/picture/picture_record.h"
#include "core/picture/shaded_picture.h"
#include "core/picture/svg_figures.h"

namespace quill {

namespace {

constexpr double kTwipsPerPixel = 15;
constexpr double kNumberPixels = 16;  // the blue print's map numbers
// The document around the figures at its longest: the declaration, the svg element, the paper,
// the frame and the group of figures, their end tags, and room to spare.
constexpr double kDocumentBytes = 2048;

QString colourText(Rgb colour) {
  return QStringLiteral("#%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString number(double v) { return QString::number(v, 'g', 8); }

// What counting the figures of a drawing found; the bytes bound the file's from above.
SvgFigures::Outcome countFigures(const DrawingState& drawing, bool square, bool numbered,
                                 const PictureRequest& request, const RenderControl& control) {
  const double mostFigureBytes = double(kMaxSvgBytes) - kDocumentBytes;
  SvgFigures figures(nullptr, drawing, square, numbered, request, control, mostFigureBytes);
  const SvgFigures::Outcome outcome = figures.draw();
  if (outcome != SvgFigures::Outcome::Done) return outcome;
  figures.writeCovered();
  return figures.bytes() <= mostFigureBytes ? outcome : SvgFigures::Outcome::TooLarge;
}

// The deepest fractal below the refused one whose file would be written: every coordinate
// finite, within kMaxSvgBytes. Depths are tried from the top, since a deeper drawing may be the
// smaller file where its figures shrink into covered pixels. Nothing when cancelled.
std::optional<int> deepestWritable(DrawingState drawing, bool square, const PictureRequest& request,
                                   const RenderControl& control) {
  const int top = drawing.iterationCount - 1;
  const RenderControl quiet{control.cancel, {}, control.threads};
  for (int depth = top; depth > 0; --depth) {
    control.report(double(top - depth) / top);  // the depths tried, as the walks stop early
    drawing.iterationCount = depth;
    const SvgFigures::Outcome outcome = countFigures(drawing, square, false, request, quiet);
    if (outcome == SvgFigures::Outcome::Done) return depth;
    if (outcome == SvgFigures::Outcome::Cancelled) return std::nullopt;
  }
  return 0;  // the base figure alone
}

// Counts the figures before anything is written, and refuses a file that could not be read back
// (a coordinate beyond what a number can hold) or would pass kMaxSvgBytes.
Status checkSvgFigures(const DrawingState& drawing, bool square, bool blueprint,
                       const PictureRequest& request, const RenderControl& control) {
  const SvgFigures::Outcome outcome = countFigures(drawing, square, blueprint, request, control);
  if (outcome == SvgFigures::Outcome::Done) return {};
  if (outcome == SvgFigures::Outcome::Cancelled) return Failure{kPictureCancelledMessage};
  if (blueprint) {
    // The blue print's ten figures at most cannot be too many; only the maps can be too large.
    return Failure{QCoreApplication::translate(
        "Messages", "The maps carry the blue print beyond the coordinates an SVG file can hold.")};
  }
  const std::optional<int> deepest = deepestWritable(drawing, square, request, control);
  if (!deepest) return Failure{kPictureCancelledMessage};
  const int depth = drawing.iterationCount;
  if (outcome == SvgFigures::Outcome::NotFinite) {
    return Failure{QCoreApplication::translate(
                       "Messages",
                       "The maps carry this fractal at depth %1 beyond the coordinates "
                       "an SVG file can hold. The largest depth that can be written "
                       "is %2.")
                       .arg(depth)
                       .arg(*deepest)};
  }
  return Failure{
      QCoreApplication::translate("Messages",
                                  "An SVG of this fractal at depth %1 would take more than %2 MB. "
                                  "The largest depth that fits is %3.")
          .arg(depth)
          .arg(kMaxSvgBytes >> 20)
          .arg(*deepest)};
}

}  // namespace

Status writeSvgPicture(const PictureInputs& inputs, const PictureRequest& request,
                       const RenderControl& control, const QString& path) {
  const DrawingState drawing = pictureState(inputs, request, request.width, request.height);
  const bool blueprint = inputs.kind == DrawingKind::BluePrint;
  const bool square = inputs.kind != DrawingKind::TriangleFractal;
  // Counting and writing walk the same figures: half the progress each.
  const RenderControl counting{
      control.cancel, [&control](double done) { control.report(done / 2); }, control.threads};
  if (const Status fits = checkSvgFigures(drawing, square, blueprint, request, counting); !fits) {
    return fits;
  }
  const RenderControl writing{
      control.cancel, [&control](double done) { control.report(0.5 + done / 2); }, control.threads};
  const auto writeSvg = [&](QIODevice& device) -> Status {
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(0);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(request.width));
    xml.writeAttribute(QStringLiteral("height"), QString::number(request.height));
    xml.writeAttribute(QStringLiteral("viewBox"),
                       QStringLiteral("0 0 %1 %2").arg(request.width).arg(request.height));
    if (!request.record.isEmpty()) {
      xml.writeStartElement(QStringLiteral("metadata"));
      xml.writeNamespace(QLatin1String(kPictureRecordNamespace), QStringLiteral("quillmere"));
      xml.writeTextElement(QLatin1String(kPictureRecordNamespace), QStringLiteral("picture"),
                           QString::fromUtf8(request.record));
      xml.writeEndElement();
    }
    xml.writeEmptyElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("height"), QStringLiteral("100%"));
    xml.writeAttribute(QStringLiteral("fill"), colourText(request.paper));

    // The frame: the drawing square's outline, dashed 8 on and 4 off as on the canvas, black.
    const double left = drawing.square.originX / kTwipsPerPixel;
    const double top = drawing.square.marginY / kTwipsPerPixel;
    const double right = (drawing.square.viewScale + drawing.square.originX) / kTwipsPerPixel;
    const double bottom = (drawing.square.viewScale + drawing.square.marginY) / kTwipsPerPixel;
    xml.writeEmptyElement(QStringLiteral("polygon"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("frame"));
    xml.writeAttribute(QStringLiteral("points"),
                       QStringLiteral("%1,%2 %3,%2 %3,%4 %1,%4")
                           .arg(number(left), number(top), number(right), number(bottom)));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), QStringLiteral("#000000"));
    xml.writeAttribute(QStringLiteral("stroke-dasharray"), QStringLiteral("8 4"));

    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), colourText(request.pen));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
    xml.writeAttribute(QStringLiteral("font-weight"), QStringLiteral("bold"));
    xml.writeAttribute(QStringLiteral("font-size"), number(kNumberPixels));
    SvgFigures figures(&xml, drawing, square, blueprint, request, writing);
    if (figures.draw() != SvgFigures::Outcome::Done) return Failure{kPictureCancelledMessage};
    figures.writeCovered();
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError()) return Failure{kRenderedPictureMessages.other};
    control.report(1);
    return {};
  };
  return writeFileStreaming(path, kRenderedPictureMessages, writeSvg, control.cancel);
}

}  // namespace quill
