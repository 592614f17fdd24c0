#include "shell/application.h"

int main() { return GameMain(); }
