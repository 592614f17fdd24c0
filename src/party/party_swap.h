// Changing the party's order.
#pragma once

// Swaps two party members (0 to 3): their creature records, their fighter
// slots' working data and their recent spells. Each keeps its own index.
void SwapPartyMembers(int a, int b);
