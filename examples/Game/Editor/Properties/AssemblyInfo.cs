using System.Reflection;

[assembly: AssemblyTitle("Editor")]
[assembly: AssemblyVersion("1.0.0.0")]
