"""What the game fixes about each area's map: its size and what stands at
the top (map pixels of the top-left corner of a 24 x 21 actor).

The tables the game itself is built from (checkpoint views, huts, overlay
windows, the fortress, start actors and the spawn chains) are in
assets/areas/ (area_data.py reads them); the consistency checker tests the
layouts against both, and the review tool marks them on the pictures.
"""

VIEW_W, VIEW_H = 320, 160
ACTOR_W, ACTOR_H = 24, 21

# area: map height in blocks
MAP_HEIGHTS = {1: 196, 2: 187, 3: 214, 4: 188, 5: 214, 6: 209, 7: 214, 8: 214}
TITLE_HEIGHT = 160  # Level0: eight title views of 160 px

GATE_PASSAGE = (120, 207)          # x range of the gate opening, rows 0..47
GATE_WINGS = ((104, 119), (208, 223))
BELOW_GATE = (140, 204, 32, 80)    # x0, x1, y0, y1: where gate soldiers walk out
HERO_TOP = 54                      # the hero cannot go above this y at the top

# Soldiers leaving the side doors at the top of area 2: (x, y, direction)
AREA2_SIDE_DOORS = ((50, 68, 6), (290, 68, 4), (50, 118, 6), (290, 118, 4))

# The verde soldier of the gate wave, by area.
VERDE_AT_GATE = {1: (176, 0), 2: (176, 0), 3: (140, 0), 4: (175, 75), 5: (140, 0),
                 6: (140, 0), 7: (140, 0), 8: (175, 75)}

# Extra grenadiers of the gate wave: (row, side); 6 enters at x 0, 4 at x 318.
GATE_WAVE_EDGES = {
    1: ((80, 6), (90, 4)),
    3: ((125, 6), (65, 4), (64, 4), (124, 6), (123, 6), (63, 4)),
    4: ((110, 6), (160, 4), (161, 4), (111, 6), (162, 6), (112, 4)),
    5: ((55, 6), (65, 4), (110, 4), (124, 6), (55, 6), (63, 4)),
    6: ((100, 4), (55, 6), (100, 6), (55, 4), (55, 6), (100, 4)),
    7: ((125, 6), (65, 4), (64, 4), (124, 6), (123, 6), (63, 4)),
    8: ((110, 6), (160, 4), (161, 4), (111, 6), (162, 6), (112, 4)),
}

# Vertical car lanes (x range of the car's left edge): area 2 from below, 7 from above.
VERTICAL_CARS = {2: (80, 240), 7: (80, 240)}
