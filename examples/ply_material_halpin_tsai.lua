-- A ply material request: carbon fibres in epoxy, elastic properties by
-- Halpin-Tsai for discontinuous ribbons. Run with the plymat operation.

if Mode() ~= "PlyMaterialCreation" then
  Message("This script defines a ply material; run it for a ply material request.")
  Cancel()
  return -- Cancel() does not stop the script
end

SetFiber{Material = 101, Fraction = 0.6}
SetMatrix{Material = 201, Fraction = 0.4}
-- Ribbon dimensions are in the host's length unit (millimetres in the demo store).
SetElasticTheory("HalpinTsai", {
  Description = "DiscontinuousRibbon",
  AvgLength = 2.0,
  AvgWidth = 0.5,
  AvgThickness = 0.05,
})
SetThermalTheory("Energy")
List()
