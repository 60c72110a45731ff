#pragma once
// The colours of our default skin "Kestrup Graphite" and of the program's icon: one place to change them.
#include "Paint.h"

namespace kes::art {

struct Palette {
    Colour frame = Rgb(40, 42, 46);  // window frame
    Colour band = Rgb(52, 55, 61);   // caption band and menu bar
    Colour bandInactive = Rgb(45, 47, 52);
    Colour bandHi = Rgb(68, 71, 78);   // the caption band's top highlight
    Colour bandSep = Rgb(26, 27, 30);  // line between caption (or menu bar) and what follows
    Colour amber = Rgb(230, 170, 40);
    Colour amberHot = Rgb(250, 198, 86);
    Colour amberDark = Rgb(158, 110, 22);
    Colour edgeInactive = Rgb(100, 103, 110);
    Colour text = Rgb(220, 222, 226);  // text on dark surfaces
    Colour textDim = Rgb(120, 123, 130);
    Colour ink = Rgb(22, 23, 26);                                  // text on light surfaces and on amber
    Colour surface = Rgb(33, 34, 38);                              // menus, troughs, check boxes
    Colour face = Rgb(212, 214, 217);                              // dialog surfaces (ButtonFace)
    Colour btnTop = Rgb(82, 86, 93), btnBottom = Rgb(56, 59, 65);  // buttons: a subtle vertical gradient
    Colour btnEdge = Rgb(26, 27, 30);
    Colour line = Rgb(86, 90, 97);   // outlines on dark surfaces
    Colour track = Rgb(36, 38, 42);  // scroll-bar track
    Colour thumb = Rgb(88, 92, 99);
    Colour lightTop = Rgb(236, 237, 239), lightBottom = Rgb(206, 208, 212);  // header sections
    Colour shadow = Rgb(128, 131, 137);
};

}  // namespace kes::art
