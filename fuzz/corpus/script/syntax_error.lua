AddPly{Material = 301, Thickness = 1, Angle = 0
