#!/usr/bin/env python3
"""Sends a scripted TUIO 1.1 drag over UDP, as a camera table's tracker would.

One bundle per frame (alive, set, fseq), a pause between frames, and a last
frame whose alive list is empty so the contacts end. By default one blob the
size of two fingers on the shipped board configuration is dragged from the
left to the right of the middle of the surface.

Examples:
  tuio_send.py --port 3333                          # two-finger blob drag
  tuio_send.py --posture hand --from 0.2 0.2 --to 0.8 0.8
  tuio_send.py --profile cursor --contacts 2         # two cursors side by side
"""
import argparse
import socket
import struct
import subprocess
import sys
import time

# Normalised blob sides that the shipped posture ranges (57.5 x 43.3 inch
# board at 4000 x 4000 units) classify as each posture, also where the area
# counts twice.
POSTURE_SIDES = {"pen": 0.003, "one": 0.01, "two": 0.0165, "fist": 0.03, "hand": 0.11}


def osc_string(text):
    data = text.encode() + b"\0"
    return data + b"\0" * (-len(data) % 4)


def osc_message(address, *args):
    tags, payload = ",", b""
    for arg in args:
        if isinstance(arg, str):
            tags, payload = tags + "s", payload + osc_string(arg)
        elif isinstance(arg, int):
            tags, payload = tags + "i", payload + struct.pack(">i", arg)
        else:
            tags, payload = tags + "f", payload + struct.pack(">f", arg)
    return osc_string(address) + osc_string(tags) + payload


def osc_bundle(*elements):
    data = osc_string("#bundle") + struct.pack(">II", 0, 1)
    for element in elements:
        data += struct.pack(">i", len(element)) + element
    return data


def tuio_frame(profile, contacts, fseq):
    """contacts: list of (session, x, y, width, height)."""
    address = "/tuio/2Dblb" if profile == "blob" else "/tuio/2Dcur"
    elements = [osc_message(address, "alive", *[c[0] for c in contacts])]
    for session, x, y, w, h in contacts:
        if profile == "blob":
            elements.append(osc_message(address, "set", session, x, y, 0.0, w, h, w * h, 0.0, 0.0, 0.0, 0.0, 0.0))
        else:
            elements.append(osc_message(address, "set", session, x, y, 0.0, 0.0, 0.0))
    elements.append(osc_message(address, "fseq", fseq))
    return osc_bundle(*elements)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=3333)
    parser.add_argument("--profile", choices=["blob", "cursor"], default="blob")
    parser.add_argument("--posture", choices=sorted(POSTURE_SIDES), default="two",
                        help="blob size (default: two fingers)")
    parser.add_argument("--size", type=float, nargs=2, metavar=("W", "H"), help="blob size, normalised")
    parser.add_argument("--contacts", type=int, default=1, help="contacts side by side (default 1)")
    parser.add_argument("--from", dest="start", type=float, nargs=2, default=(0.3, 0.5), metavar=("X", "Y"))
    parser.add_argument("--to", dest="end", type=float, nargs=2, default=(0.7, 0.5), metavar=("X", "Y"))
    parser.add_argument("--steps", type=int, default=40, help="frames of the drag (default 40)")
    parser.add_argument("--interval", type=float, default=0.02, help="seconds between frames (default 0.02)")
    parser.add_argument("--hold", type=int, default=5, help="keep-alive frames before the release (default 5)")
    parser.add_argument("--wait-command", metavar="CMD",
                        help="shell command run after each drag frame instead of the pause; "
                             "the drag stops with its status when it fails")
    parser.add_argument("--release-command", metavar="CMD",
                        help="shell command run before the release, which waits for it")
    parser.add_argument("--first-session", type=int, default=1)
    parser.add_argument("--first-frame", type=int, default=1)
    options = parser.parse_args()

    width, height = options.size or (POSTURE_SIDES[options.posture],) * 2
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    fseq = options.first_frame

    def send(datagram, wait=False):
        sock.sendto(datagram, (options.host, options.port))
        if wait and options.wait_command:
            return subprocess.run(options.wait_command, shell=True).returncode
        time.sleep(options.interval)
        return 0

    steps = max(options.steps, 1)
    for step in range(steps + 1):
        t = step / steps
        x = options.start[0] + (options.end[0] - options.start[0]) * t
        y = options.start[1] + (options.end[1] - options.start[1]) * t
        contacts = [(options.first_session + i, x, y + i * 0.05, width, height) for i in range(options.contacts)]
        status = send(tuio_frame(options.profile, contacts, fseq), wait=True)
        fseq += 1
        if status != 0:
            break
    address = "/tuio/2Dblb" if options.profile == "blob" else "/tuio/2Dcur"
    sessions = [options.first_session + i for i in range(options.contacts)]
    for _ in range(options.hold):
        send(osc_bundle(osc_message(address, "alive", *sessions), osc_message(address, "fseq", fseq)))
        fseq += 1
    if status == 0 and options.release_command:
        status = subprocess.run(options.release_command, shell=True).returncode
    send(osc_bundle(osc_message(address, "alive"), osc_message(address, "fseq", fseq)))
    return status


if __name__ == "__main__":
    sys.exit(main())
