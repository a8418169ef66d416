#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>

// The browser's stored state in the layout data: the 156-byte "ControlData"
// block as the WebBrowser control's stream persistence writes it. Of its
// contents only the control's size (in 0.01 mm) means anything here; the
// stored location is an empty Shell Link, that is, no page.
namespace control_data {

inline constexpr int kBlockSize = 156;

// The control's extent in units of 0.01 mm, when the block is well-formed;
// nothing when it cannot be read.
std::optional<QSize> ReadExtent(const QByteArray& block);
// The extent in pixels at the given density (2540 units to the inch).
QSize ExtentToPixels(QSize extent, double dotsPerInch);
// The block for a control of this extent, with the control's own defaults.
QByteArray MakeBlock(QSize extent);

}  // namespace control_data
