// Must fail the Windows XP load check: it is linked for subsystem 6.0, which
// XP's loader refuses.
int main() {
  return 0;
}
