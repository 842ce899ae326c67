#pragma once

class ArtOutput;

// The images of the canvas skins: per base skin (Light, Dark) the arrows,
// indicators, menu button, mute image and logos; per accent the drop-list
// arrow and the mute image in the accent colour.
namespace SkinImages {
void makeBaseSkin(ArtOutput &out, const char *skinName);
void makeAccent(ArtOutput &out, const char *accentName, const char *accentColor);
} // namespace SkinImages
