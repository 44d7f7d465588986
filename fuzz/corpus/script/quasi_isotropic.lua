-- A quasi-isotropic carbon/epoxy laminate built ply by ply: [0/45/-45/90]s.
-- ./run uses it to create a new laminate; in modification mode the plies go
-- on top of the current laminate.

local material = 301   -- "Carbon/epoxy UD 0.125" in the demo catalogue
local thickness = 0.125

Message("Building [0/45/-45/90]s on top of " .. CountPlies() .. " plies")

-- Nothing selected: each new ply goes on top of the stack.
for _, angle in ipairs({0, 45, -45, 90}) do
  AddPly{Material = material, Thickness = thickness, Angle = angle, Color = 2}
end

-- The symmetric half comes from the stacking rule, not from more plies.
SetStackingSequence("Full Symmetric")
SetProperties{Theory = "Tsai-Wu", F12 = -0.5}
SetReferencePlane{Method = "Middle"}

Message("Stored plies: " .. CountPlies() .. " with the symmetric half")
List()
