#pragma once

// Registers the resource bundles the document needs on its own (data files,
// templates and skins). Call once before touching a ":/" path.
namespace UModelResources {
void registerAll();
}
