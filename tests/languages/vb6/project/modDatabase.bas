Attribute VB_Name = "modDatabase"
Public Function OpenQuery(ByVal sql As String) As Object
    Set OpenQuery = Nothing
End Function
Public Sub ExecuteSql(ByVal sql As String)
End Sub
Public Sub LogRun(ByVal ticks As Long)
    Debug.Print ticks
End Sub
