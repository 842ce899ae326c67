#pragma once

// Registers the compiled resource bundles of the core library. The program,
// zrbtool and every test call it once before touching a ":/" path.
namespace AppResources {
void registerAll();
}
