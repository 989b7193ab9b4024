// The library's own check-box glyph strip, registered as a named image.
#include <cstring>

#include "Gwradchk.h"
#include "resources.h"

namespace {

// Nine 13 x 13 cells: unchecked, checked, grayed; the same pressed (silver inside); the same
// disabled (button face inside, grey marks).
const char CheckStrip[] = "/* XPM */\n"
                          "static const char* strip[] = {\n"
                          "\"117 13 7 1\",\n"
                          "\"f c #808080\",\n"
                          "\"w c #FFFFFF\",\n"
                          "\"p c #C0C0C0\",\n"
                          "\"d c #D4D0C8\",\n"
                          "\"k c #000000\",\n"
                          "\"g c #808080\",\n"
                          "\"h c #A0A0A0\",\n"
                          "\"ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"
                          "fffffffffffffffffffffffffffffffffffff\",\n"
                          "\"fwwwwwwwwwwwffwwwwwwwwwwwffwwwwwwwwwwwffpppppppppppffpppppppppppffpppppppppppffd"
                          "ddddddddddffdddddddddddffdddddddddddf\",\n"
                          "\"fwwwwwwwwwwwffwwwwwwwwwwwffwwwwwwwwwwwffpppppppppppffpppppppppppffpppppppppppffd"
                          "ddddddddddffdddddddddddffdddddddddddf\",\n"
                          "\"fwwwwwwwwwwwffwwwwwwwwkwwffwwwwwwwwgwwffpppppppppppffppppppppkppffppppppppgppffd"
                          "ddddddddddffddddddddgddffddddddddhddf\",\n"
                          "\"fwwwwwwwwwwwffwwwwwwwkkwwffwwwwwwwggwwffpppppppppppffpppppppkkppffpppppppggppffd"
                          "ddddddddddffdddddddggddffdddddddhhddf\",\n"
                          "\"fwwwwwwwwwwwffwwkwwwkkkwwffwwgwwwgggwwffpppppppppppffppkpppkkkppffppgpppgggppffd"
                          "ddddddddddffddgdddgggddffddhdddhhhddf\",\n"
                          "\"fwwwwwwwwwwwffwwkkwkkkwwwffwwggwgggwwwffpppppppppppffppkkpkkkpppffppggpgggpppffd"
                          "ddddddddddffddggdgggdddffddhhdhhhdddf\",\n"
                          "\"fwwwwwwwwwwwffwwkkkkkwwwwffwwgggggwwwwffpppppppppppffppkkkkkppppffppgggggppppffd"
                          "ddddddddddffddgggggddddffddhhhhhddddf\",\n"
                          "\"fwwwwwwwwwwwffwwwkkkwwwwwffwwwgggwwwwwffpppppppppppffpppkkkpppppffpppgggpppppffd"
                          "ddddddddddffdddgggdddddffdddhhhdddddf\",\n"
                          "\"fwwwwwwwwwwwffwwwwkwwwwwwffwwwwgwwwwwwffpppppppppppffppppkppppppffppppgppppppffd"
                          "ddddddddddffddddgddddddffddddhddddddf\",\n"
                          "\"fwwwwwwwwwwwffwwwwwwwwwwwffwwwwwwwwwwwffpppppppppppffpppppppppppffpppppppppppffd"
                          "ddddddddddffdddddddddddffdddddddddddf\",\n"
                          "\"fwwwwwwwwwwwffwwwwwwwwwwwffwwwwwwwwwwwffpppppppppppffpppppppppppffpppppppppppffd"
                          "ddddddddddffdddddddddddffdddddddddddf\",\n"
                          "\"ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"
                          "fffffffffffffffffffffffffffffffffffff\"\n"
                          "};\n";

} // namespace

void RegisterGwButtonResources() {
    if (!ResourceImageExists(GwCheckStripResource))
        RegisterResourceImage(GwCheckStripResource, CheckStrip, std::strlen(CheckStrip));
}
