// The kinds of crafted items by item type (1 to 48): weapons below 36 (8 the
// wand), 36 and 37 shields, 38 to 48 armour. The forge lists them and the
// item sheet names them.
#pragma once

constexpr int kForgeKinds = 48;
extern const char ForgeKindNames[kForgeKinds][16];
