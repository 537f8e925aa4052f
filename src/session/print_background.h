// The question before a printout of a graph on a coloured background, and the
// colour scheme the printout then uses.
//
// Colour scheme 0 has a white background and is printed without asking. On
// the other schemes the user chooses: leave the background out (the printout
// then uses scheme 0 throughout, so the light text and axis colours meant for
// a dark background do not vanish on white paper), print the background as
// shown, or print nothing.
#pragma once

namespace kv {

// The answers of the question, as the ids of its buttons; 0 when it was
// cancelled or closed.
inline constexpr int kPrintAnswerCancel = 0;
inline constexpr int kPrintOmitBackground = 1800;  // "Hintergrund &nicht mitdrucken"
inline constexpr int kPrintWithBackground = 1801;  // "&Hintergrundfarbe drucken"

bool print_asks_background(int palette);

// The colour scheme to print with after the answer (ignored when the
// question is not asked); -1 when nothing is to be printed.
int print_palette(int palette, int answer);

}  // namespace kv
