SetFiber{Material = 102, Fraction = 0.55}
SetMatrix{Material = 202}
SetThermalTheory("Levin")
SetElasticTheory("HalpinTsai", {Description = "UserDefined", ReinforceE11 = 2, ReinforceE22 = 1.5, ReinforceNU12 = 1, ReinforceNU23 = 1, ReinforceG12 = 1})
List()
SetElasticTheory("HalpinTsai", {Description = "DiscontinuousFiber", LongitudinalAspectRatio = 20})
SetElasticTheory("HalpinTsai", {Description = "ContinuousRibbon", RibbonDimensions = 3})
SetElasticTheory("MechanicsOfMaterials")
SetElasticTheory("CompositeCylinderAssemblage", {})
SetElasticTheory("GoughTangorra")
SetElasticTheory("AkasakaHirano")
SetElasticTheory("UserDefined")
local m = SelectMaterial()
if m then SetFiber{Material = m} end
pcall(SetFiber, {Material = 999})
pcall(SetMatrix, {Material = 101, Fraction = 0/0})
pcall(SetElasticTheory, "HalpinTsai")
pcall(SetElasticTheory, "HalpinTsai", {Description = "Whiskers"})
pcall(SetElasticTheory, 5)
pcall(SetThermalTheory, "Fourier")
List()
Cancel()
SetFiber{Material = 101}
Message("after cancel")
