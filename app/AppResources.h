#pragma once

// Registers every compiled resource bundle, the document's and the editor's.
// The program and every test of the editor call it once before touching a
// ":/" path.
namespace AppResources {
void registerAll();
}
