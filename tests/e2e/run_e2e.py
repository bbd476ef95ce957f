"""Runs every scenario of tests/e2e/scenarios_*.py (functions named scenario_*), each
against its own fresh orvane.exe, and prints one result line per scenario and the totals."""
import importlib.util
import glob
import os
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)


def main(selected):
    passed = failed = 0
    for path in sorted(glob.glob(os.path.join(HERE, "scenarios_*.py"))):
        name = os.path.splitext(os.path.basename(path))[0]
        spec = importlib.util.spec_from_file_location(name, path)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        for attr in sorted(dir(module)):
            if not attr.startswith("scenario_"):
                continue
            label = "%s.%s" % (name, attr)
            if selected and not any(s in label for s in selected):
                continue
            start = time.time()
            try:
                getattr(module, attr)()
                passed += 1
                print("  ok    %-60s %5.1fs" % (label, time.time() - start), flush=True)
            except Exception:
                failed += 1
                print("  FAIL  %s" % label, flush=True)
                traceback.print_exc(file=sys.stdout)
    print("end-to-end: %d passed, %d failed" % (passed, failed))
    print("E %d %d" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
