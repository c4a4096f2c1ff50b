// Placeholder until the simulated unit is written.
int main() { return 0; }
