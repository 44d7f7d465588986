-- A ply material request: carbon fibres in epoxy, elastic properties by
-- Halpin-Tsai for discontinuous ribbons. Run with the plymat operation.

if Mode() ~= "PlyMaterialCreation" then
  Message("This script defines a ply material; run it for a ply material request.")
  Cancel()
end

SetFiber{Material = 101, Fraction = 0.6}
SetMatrix{Material = 201, Fraction = 0.4}
SetElasticTheory("HalpinTsai", {
  Description = "DiscontinuousRibbon",
  AvgLength = 0.002,
  AvgWidth = 0.0005,
  AvgThickness = 0.00005,
})
SetThermalTheory("Energy")
List()
