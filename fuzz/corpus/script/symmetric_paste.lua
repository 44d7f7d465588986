-- Copy a block of plies and paste it back as its mirror image and as an
-- antisymmetric copy, the usual way to build balanced laminates by hand.

UnselectAll()
SelectAll()
Delete()

for _, angle in ipairs({0, 30, 60}) do
  AddPly{Material = 302, Thickness = 0.25, Angle = angle, Color = 4}
end

SelectAll()
Copy()

-- Nothing selected pastes on top: first the block reversed, then reversed
-- with negated angles.
Paste{Style = "Symmetry"}
UnselectAll()
Paste{Style = "Antisymmetry", Count = 2}

Message("Plies: " .. CountPlies())
List()
