// kestrup-mpart <folder> <resource script>: draws the media player's button glyphs as 4-bit bitmap files into
// the folder and writes the resource script that stores them in a program.
#include "GlyphTool.h"
#include "MpArt.h"

int main(int argc, char** argv) {
    return kes::RunGlyphTool(argc, argv, "kestrup-mpart", kes::mpart::DrawMediaGlyphs,
                             kes::mpart::MediaResourceScript);
}
