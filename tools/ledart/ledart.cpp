// kestrup-ledart <folder> <resource script>: draws the port lamp's glyphs as 4-bit bitmap files into the folder
// and writes the resource script that stores them in a program.
#include "GlyphTool.h"
#include "LedArt.h"

int main(int argc, char** argv) {
    return kes::RunGlyphTool(argc, argv, "kestrup-ledart", kes::ledart::DrawLedGlyphs, kes::ledart::LedResourceScript);
}
