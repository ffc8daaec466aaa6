// plumctl: the PLU manager's commands without windows.
int main() { return 0; }
