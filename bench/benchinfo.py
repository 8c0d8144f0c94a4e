"""What the benchmark drivers print about the machine and the peer tools."""

import platform
import subprocess
from pathlib import Path


def first_line(argv):
    """The first line a tool prints about itself (its version), or "?"."""
    try:
        done = subprocess.run(argv, capture_output=True, text=True, check=False)
        text = (done.stdout or done.stderr).strip()
        return text.splitlines()[0] if text else "?"
    except OSError:
        return "?"


def cpu_model():
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "?"
