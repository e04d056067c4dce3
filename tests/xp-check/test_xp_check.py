"""Usage: test_xp_check.py XP_CHECK NEW_IMPORT_EXE NEW_SUBSYSTEM_EXE

The Windows XP load check fails, naming the fault, for a program that would
not load there."""
import subprocess
import sys
import unittest

XP_CHECK, NEW_IMPORT, NEW_SUBSYSTEM = sys.argv[1:4]


def check(program):
    run = subprocess.run([sys.executable, XP_CHECK, program], capture_output=True, text=True)
    return run.returncode, run.stdout


class XpCheckTest(unittest.TestCase):
    def test_an_import_from_vista_names_its_dll_and_function(self):
        code, output = check(NEW_IMPORT)
        self.assertEqual(code, 1, output)
        self.assertIn('imports GetTickCount64 from KERNEL32.dll, which Windows XP does not export',
                      output)

    def test_a_newer_subsystem_names_the_version(self):
        code, output = check(NEW_SUBSYSTEM)
        self.assertEqual(code, 1, output)
        self.assertIn('asks for Windows 6.0 (subsystem version); Windows XP is 5.1', output)
        self.assertNotIn('imports', output)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
