// Stand-in while the picture tool is not in the tree.
int main() { return 0; }
