#include "engine/application.h"

int main() { return GameMain(); }
