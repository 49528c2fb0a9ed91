#!/usr/bin/python3
"""puertacer.png: the closed fortress gate, one picture of 88 x 48."""

import buildings
from picture import run

if __name__ == "__main__":
    run(buildings.gate_closed)
