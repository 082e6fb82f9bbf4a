// Links the game and the platform's core with every object file and no Qt:
// the build fails here if either reaches a Qt symbol.
int main() { return 0; }
