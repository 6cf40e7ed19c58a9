#pragma once

// Window geometry is laid out in twips (1/1440 inch). This is the one place
// that turns twips into pixels and back: 15 twips a pixel at 96 dpi, scaled
// by the screen's logical dpi.
namespace Twips {
double dotsPerInch();
int toPixels(double twips);
float fromPixels(int pixels);
} // namespace Twips
