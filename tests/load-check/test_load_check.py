"""Usage: test_load_check.py LOAD_CHECK VISTA_IMPORT XP_IMPORT XP_SUBSYSTEM VISTA_SUBSYSTEM

The load check fails, naming the fault and the version, for a program that
would not load on Windows 2000 or XP, and passes it on a version where it
would."""
import subprocess
import sys
import unittest

LOAD_CHECK, VISTA_IMPORT, XP_IMPORT, XP_SUBSYSTEM, VISTA_SUBSYSTEM = sys.argv[1:6]


def check(program):
    run = subprocess.run([sys.executable, LOAD_CHECK, program], capture_output=True, text=True)
    return run.returncode, run.stdout


class LoadCheckTest(unittest.TestCase):
    def test_an_import_from_vista_fails_on_both(self):
        code, output = check(VISTA_IMPORT)
        self.assertEqual(code, 1, output)
        for windows in ('Windows 2000', 'Windows XP'):
            self.assertIn('imports GetTickCount64 from KERNEL32.dll, which %s does not export'
                          % windows, output)
            self.assertIn('does not load on %s' % windows, output)

    def test_an_import_from_xp_fails_only_on_2000(self):
        code, output = check(XP_IMPORT)
        self.assertEqual(code, 1, output)
        self.assertIn('imports DisableProcessWindowsGhosting from USER32.dll, '
                      'which Windows 2000 does not export', output)
        self.assertIn('does not load on Windows 2000', output)
        self.assertIn('loads on Windows XP', output)
        self.assertNotIn('Windows XP does not export', output)

    def test_a_newer_subsystem_names_the_versions(self):
        code, output = check(XP_SUBSYSTEM)
        self.assertEqual(code, 1, output)
        self.assertIn('asks for Windows 5.1 (subsystem version); Windows 2000 is 5.0', output)
        self.assertIn('loads on Windows XP', output)
        code, output = check(VISTA_SUBSYSTEM)
        self.assertEqual(code, 1, output)
        self.assertIn('asks for Windows 6.0 (subsystem version); Windows 2000 is 5.0', output)
        self.assertIn('asks for Windows 6.0 (subsystem version); Windows XP is 5.1', output)
        self.assertNotIn('imports', output)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
