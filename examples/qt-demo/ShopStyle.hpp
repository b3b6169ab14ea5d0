#pragma once
// The shop's look: Fusion with a light palette and a few roles ("title",
// "muted", "primary", "banner") that the .ui files set as properties.
class QApplication;

namespace demo {

void applyShopStyle(QApplication& app);

}  // namespace demo
