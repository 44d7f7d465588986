Message("a")
Cancel()
AddPly{Material = 301, Thickness = 1, Angle = 0}
Message(CountPlies() == nil and "nil" or "n")
