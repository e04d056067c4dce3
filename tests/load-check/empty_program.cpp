// A program with nothing to import of its own, linked for a newer subsystem
// than a version's loader takes: only its PE header may fail the check.
int main() {
  return 0;
}
