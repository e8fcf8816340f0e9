using System.Windows.Controls;

namespace Editor.Views
{
    public partial class SceneView : UserControl
    {
        public SceneView() { InitializeComponent(); }
    }
}
