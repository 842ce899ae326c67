#pragma once

class ArtOutput;

// The 16 x 16 icons of the project tree and its tabs, and the picture an image
// control shows before one is chosen.
namespace TreeIcons {
void makeDocumentIcons(ArtOutput &out);  // collections and the three kinds of panel
void makeParameterIcons(ArtOutput &out); // button, drop list, slider, parameter set
void makeGraphicIcons(ArtOutput &out);   // label, image, frame, region
void makeTabIcons(ArtOutput &out);       // the Project and Properties tabs
void makePlaceholderImage(ArtOutput &out);
} // namespace TreeIcons
